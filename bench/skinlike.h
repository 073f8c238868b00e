// A 562 x 520 picture in the manner of the panel skin: artwork (vines,
// branches, leaves, a parchment sheet, round buttons) on pure black.
#pragma once

#include <QImage>

QImage skinLikeImage(quint32 seed = 7);
