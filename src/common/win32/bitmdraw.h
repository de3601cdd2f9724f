// CBitMDraw: draws a bitmap through a mask bitmap. Where the mask is white the image
// is copied; where it is black the image is ANDed onto what was there (so white image
// pixels leave the background as it was).
#pragma once

#include <windows.h>

namespace zv {

class CBitMDraw {
public:
    // Draws image resource `imageId` through mask resource `maskId` of the program at
    // (x, y) of dc, width by height pixels.
    CBitMDraw(int x, int y, int width, int height, HDC dc, int imageId, int maskId);
    // The same with bitmaps the caller holds.
    CBitMDraw(int x, int y, int width, int height, HDC dc, HBITMAP image, HBITMAP mask);

private:
    static void Draw(int x, int y, int width, int height, HDC dc, HBITMAP image, HBITMAP mask);
};

}  // namespace zv
