#include "common/win32/bitmdraw.h"

#include "common/win32/handles.h"

namespace zv {

CBitMDraw::CBitMDraw(int x, int y, int width, int height, HDC dc, int imageId, int maskId) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    const UniqueBitmap image(LoadBitmapW(module, MAKEINTRESOURCEW(imageId)));
    const UniqueBitmap mask(LoadBitmapW(module, MAKEINTRESOURCEW(maskId)));
    if (image && mask)
        Draw(x, y, width, height, dc, image.Get(), mask.Get());
}

CBitMDraw::CBitMDraw(int x, int y, int width, int height, HDC dc, HBITMAP image, HBITMAP mask) {
    if (image != nullptr && mask != nullptr)
        Draw(x, y, width, height, dc, image, mask);
}

void CBitMDraw::Draw(int x, int y, int width, int height, HDC dc, HBITMAP image, HBITMAP mask) {
    const MemoryDc work(CreateCompatibleDC(dc));
    const MemoryDc source(CreateCompatibleDC(dc));
    const UniqueBitmap workBitmap(CreateCompatibleBitmap(dc, width, height));
    if (!work || !source || !workBitmap)
        return;
    const SelectScope workSelection(work.Get(), workBitmap.Get());
    const SelectScope sourceSelection(source.Get(), mask);
    BitBlt(work.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);  // a copy of the mask
    BitBlt(work.Get(), 0, 0, width, height, dc, x, y, NOTSRCERASE);  // NOT (destination OR mask)
    PatBlt(work.Get(), 0, 0, width, height, DSTINVERT);              // destination OR mask
    SelectObject(source.Get(), image);
    BitBlt(work.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCAND);  // ... AND image
    BitBlt(dc, x, y, width, height, work.Get(), 0, 0, SRCCOPY);
}

}  // namespace zv
