// A Qt window for the placement rules. Geometry is the window's own (without
// the frame the window manager adds), 15 twips to a pixel.
#pragma once

#include <QPointer>
#include <QWidget>

#include "platform/PlacedWindow.h"

inline constexpr double kTwipsPerPixel = 15.0;

class QtPlacedWindow : public IPlacedWindow {
public:
    // name: the window's name in the settings file ("frmMainMDI").
    QtPlacedWindow(QWidget* window, std::string name) : m_window(window), m_name(std::move(name)) {}

    std::string name() const override { return m_name; }
    TwipRect normalGeometry() const override;
    TwipSize screenSize() const override;
    TwipSize centreArea() const override;
    void moveTo(double left, double top) override;
    void moveAndSize(const TwipRect& geometry) override;

private:
    // The widget that is moved: the window itself, or the MDI frame around it.
    QWidget* placed() const;

    QPointer<QWidget> m_window;
    std::string m_name;
};
