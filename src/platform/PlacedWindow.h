// A window as the placement rules see it: its name, its geometry in twips and
// the area it is placed in. Twips are 1/1440 inch; the Qt windows convert at
// 15 twips to a pixel.
#pragma once

#include <string>

struct TwipSize {
    double width = 0;
    double height = 0;
};

struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    bool operator==(const TwipRect&) const = default;
};

class IPlacedWindow {
public:
    virtual ~IPlacedWindow() = default;
    // The window's name, which names its section of the settings file.
    virtual std::string name() const = 0;
    // Position and size in the normal state, also while the window is
    // minimised or maximised.
    virtual TwipRect normalGeometry() const = 0;
    virtual TwipSize screenSize() const = 0;
    // The area the window is centred in: the main window's client area for its
    // child windows, else the screen.
    virtual TwipSize centreArea() const = 0;
    virtual void moveTo(double left, double top) = 0;
    virtual void moveAndSize(const TwipRect& geometry) = 0;
};
