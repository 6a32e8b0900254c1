// IMG transforms: nearest-neighbour scaling and rotation.
#include "grid_transform.h"
#include "img.h"

void img_scale(const Image* src, Image* dst)
{
    grid::scale(src, dst, img_error);
}

Image* img_rotate(const Image* src, int32_t angle)
{
    return grid::rotate(src, angle, img_error);
}
