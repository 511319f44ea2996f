#pragma once
// The window's pictures, drawn by the program itself at the sizes it uses.
// Sizes are logical pixels; ratio is the screen's device pixel ratio, so a
// picture on a 2x screen is drawn with twice the pixels, not scaled up.
#include <QIcon>
#include <QImage>

// The globe of picTray: a blue sphere with meridians and parallels, on a
// transparent ground, readable on dark and light desktops.
QImage DrawGlobe(int size = 32, qreal ratio = 1);
// The 4 x 56 strip stretched behind the title: light at the top, deeper blue below.
QImage DrawTitleStrip();
// A 24 x 24 speaker, with sound waves or struck through when muted.
QImage DrawSpeaker(bool muted, qreal ratio = 1);
// A 20 x 20 eject sign: a triangle over a bar.
QImage DrawEject(qreal ratio = 1);
// The 13 x 12 close button of an alert, plain or under the pointer.
QImage DrawCloseButton(bool hover, qreal ratio = 1);
// The window's own icon (the globe at the usual icon sizes).
QIcon WindowIcon();
// A memory module: a green board with black chips and gold contacts, the
// Free Memory window's icon, at the usual icon sizes.
QImage DrawMemoryModule(int size = 32, qreal ratio = 1);
QIcon MemoryIcon();
