// Prints the rectangles of a region made with GDI, one "left top right bottom" a line:
//   gdi_regions roundrect LEFT TOP RIGHT BOTTOM CORNER_WIDTH CORNER_HEIGHT
//   gdi_regions ellipse LEFT TOP RIGHT BOTTOM
//   gdi_regions outline LEFT TOP RIGHT BOTTOM CORNER_WIDTH CORNER_HEIGHT DISC_LEFT DISC_TOP DISC_RIGHT DISC_BOTTOM
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/windows/gdi_regions.h"

int main(int argc, char** argv) {
    using namespace murmora;
    const std::string shape = argc > 1 ? argv[1] : "";
    std::vector<int> v;
    for (int i = 2; i < argc; ++i)
        v.push_back(std::atoi(argv[i]));
    Outline outline;
    if (shape == "roundrect" && v.size() == 6) {
        outline = {OutlineShape::roundedRectangle(v[0], v[1], v[2], v[3], v[4], v[5])};
    } else if (shape == "ellipse" && v.size() == 4) {
        outline = {OutlineShape::ellipse(v[0], v[1], v[2], v[3])};
    } else if (shape == "outline" && v.size() == 10) {
        outline = {OutlineShape::roundedRectangle(v[0], v[1], v[2], v[3], v[4], v[5]),
                   OutlineShape::ellipse(v[6], v[7], v[8], v[9])};
    } else {
        std::fprintf(stderr, "usage: gdi_regions roundrect|ellipse|outline VALUES...\n");
        return 2;
    }
    const HRGN region = gdiOutline(outline);
    for (const RECT& r : gdiRegionRects(region))
        std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
    DeleteObject(region);
    return 0;
}
