// BYTEMAP transforms: nearest-neighbour scaling and rotation, and the run
// and line tables, which are the IMG module's under the byte map's names.
#include "bytemap.h"
#include "grid_transform.h"
#include "img.h"

void bytemap_scale(const ByteMap* src, ByteMap* dst)
{
    grid::scale(src, dst, bytemap_error);
}

ByteMap* bytemap_rotate(const ByteMap* src, int32_t angle)
{
    return grid::rotate(src, angle, bytemap_error);
}

int32_t* bytemap_run_table(int32_t a, int32_t b)
{
    return img_run_table(a, b);
}

int32_t* bytemap_line_points(int32_t x0, int32_t y0, int32_t x1, int32_t y1)
{
    return img_line_points(x0, y0, x1, y1);
}
