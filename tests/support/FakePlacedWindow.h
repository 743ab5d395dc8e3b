// A window for the placement rules without a screen: a fixed screen and
// client area, and the geometry it was given.
#pragma once

#include <string>

#include "platform/PlacedWindow.h"

class FakePlacedWindow : public IPlacedWindow {
public:
    explicit FakePlacedWindow(std::string name = "window") : m_name(std::move(name)) {}
    std::string name() const override { return m_name; }
    TwipRect normalGeometry() const override { return geometry; }
    TwipSize screenSize() const override { return {12000, 9000}; }
    TwipSize centreArea() const override { return {12000, 9000}; }
    void moveTo(double l, double t) override {
        geometry.left = l, geometry.top = t;
        ++moves;
    }
    void moveAndSize(const TwipRect& g) override { geometry = g; }

    TwipRect geometry{0, 0, 4000, 3000};
    int moves = 0;

private:
    std::string m_name;
};
