// Resource ids of an image's larger sets. A bitmap is drawn at 100 %, 150 % and 200 %: the
// 100 % image carries its own id, the larger ones that id plus these offsets. Included by
// the resource scripts, so only macros.
#pragma once

#define ZV_IMAGE_150(id) ((id) + 1000)
#define ZV_IMAGE_200(id) ((id) + 2000)
