// BYTEMAP transforms: nearest-neighbour scaling and rotation.
#include "bytemap.h"
#include "grid_transform.h"

void bytemap_scale(const ByteMap* src, ByteMap* dst)
{
    grid::scale(src, dst, bytemap_error);
}

ByteMap* bytemap_rotate(const ByteMap* src, int32_t angle)
{
    return grid::rotate(src, angle, bytemap_error);
}
