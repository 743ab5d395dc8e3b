// The program's pictures, drawn in code: the eight wallpapers, the ribbon's
// page icons, the logo and the window icon.
#pragma once

#include <QIcon>
#include <QImage>
#include <QPixmap>

// Wallpaper 1..8, 400 x 300 pixels; an empty image for any other number.
QImage WallpaperPicture(int picture);
// Ribbon icon: 1..7 the pages, 0 the End button.
QIcon RibbonIcon(int index);
QPixmap LogoPixmap(int height);
QIcon ProgramIcon();
