// The program's pictures, drawn in code: the eight wallpapers, the ribbon's
// page icons, the logo and the window icon.
#pragma once

#include <QColor>
#include <QIcon>
#include <QImage>
#include <QPixmap>

// Wallpaper 1..8, 400 x 300 pixels; an empty image for any other number.
QImage WallpaperPicture(int picture);
// The ink of a disabled ribbon button's caption and icon: a grey that still
// reads on the header colour (better than 4:1), clearly lighter than the ink
// of an enabled one.
QColor RibbonDisabledInk();
// Ribbon icon: 1..7 the pages, 0 the End button; its disabled form is drawn
// in greys from RibbonDisabledInk up.
QIcon RibbonIcon(int index);
QPixmap LogoPixmap(int height);
// The program's icon drawn for a square of size pixels.
QImage ProgramIconImage(int size);
// The sizes desktops and window managers ask for, from the panel's to the
// launcher's.
inline constexpr int kProgramIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};
// The icon at those sizes and at the style's small and large icon sizes.
QIcon ProgramIcon();
