#include "ImageOrigin.h"

ImageOrigin &ImageOrigin::instance()
{
    static ImageOrigin origin;
    return origin;
}
