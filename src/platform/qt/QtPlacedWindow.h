// A Qt window for the placement rules. Geometry is the window's own (without
// the frame the window manager adds), 15 twips to a pixel.
//
// A page inside the main window is placed by its MDI frame. Such a frame
// minimised to a bar or maximised over the client area still has a normal
// geometry, the one it returns to; Qt keeps it out of reach, so it is
// followed here from the frame's moves and resizes in the normal state.
#pragma once

#include <QPointer>
#include <QRect>
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
    // A frame that is minimised or maximised returns to the normal state
    // first (staying hidden when it was), so that the placement holds.
    void moveTo(double left, double top) override;
    void moveAndSize(const TwipRect& geometry) override;

private:
    class NormalGeometryTracker;

    // The widget that is moved: the window itself, or the MDI frame around it.
    QWidget* placed() const;
    // The normal geometry of an MDI frame, in its parent's pixels.
    QRect frameNormalGeometry(QWidget* frame) const;
    void restoreNormalState(QWidget* frame);

    QPointer<QWidget> m_window;
    std::string m_name;
    mutable QPointer<NormalGeometryTracker> m_tracker;  // lives on the frame
};
