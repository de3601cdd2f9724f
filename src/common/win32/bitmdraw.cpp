#include "common/win32/bitmdraw.h"

namespace zv {

CBitMDraw::CBitMDraw(int x, int y, int width, int height, HDC dc, int imageId, int maskId) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    HBITMAP image = LoadBitmapW(module, MAKEINTRESOURCEW(imageId));
    HBITMAP mask = LoadBitmapW(module, MAKEINTRESOURCEW(maskId));
    if (image != nullptr && mask != nullptr)
        Draw(x, y, width, height, dc, image, mask);
    if (image != nullptr)
        DeleteObject(image);
    if (mask != nullptr)
        DeleteObject(mask);
}

CBitMDraw::CBitMDraw(int x, int y, int width, int height, HDC dc, HBITMAP image, HBITMAP mask) {
    if (image != nullptr && mask != nullptr)
        Draw(x, y, width, height, dc, image, mask);
}

void CBitMDraw::Draw(int x, int y, int width, int height, HDC dc, HBITMAP image, HBITMAP mask) {
    HDC work = CreateCompatibleDC(dc);
    HDC source = CreateCompatibleDC(dc);
    HBITMAP workBitmap = CreateCompatibleBitmap(dc, width, height);
    if (work == nullptr || source == nullptr || workBitmap == nullptr) {
        if (workBitmap != nullptr)
            DeleteObject(workBitmap);
        if (source != nullptr)
            DeleteDC(source);
        if (work != nullptr)
            DeleteDC(work);
        return;
    }
    HGDIOBJ oldWork = SelectObject(work, workBitmap);
    HGDIOBJ oldSource = SelectObject(source, mask);
    BitBlt(work, 0, 0, width, height, source, 0, 0, SRCCOPY);  // a copy of the mask
    BitBlt(work, 0, 0, width, height, dc, x, y, NOTSRCERASE);  // NOT (destination OR mask)
    PatBlt(work, 0, 0, width, height, DSTINVERT);              // destination OR mask
    SelectObject(source, image);
    BitBlt(work, 0, 0, width, height, source, 0, 0, SRCAND);  // ... AND image
    BitBlt(dc, x, y, width, height, work, 0, 0, SRCCOPY);
    SelectObject(source, oldSource);
    SelectObject(work, oldWork);
    DeleteObject(workBitmap);
    DeleteDC(source);
    DeleteDC(work);
}

}  // namespace zv
