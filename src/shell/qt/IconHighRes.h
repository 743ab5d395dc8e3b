// Window icons from the program's icon resources, at every size the
// platform asks for (its small and large icon sizes among them).
#pragma once

#include <QIcon>
#include <QString>

class QWidget;

// The icon resource of that name; "AAA" is the program's own icon. A null
// icon for any other name.
QIcon IconResource(const QString& szResource);

// Gives hWnd the icon of szResource. With bOwnerToo also its top owner (the
// last window up its chain of parents) and the application, the owner of
// every window, so that the windows and boxes made later carry it as well.
// An unknown resource changes nothing.
void SetWindowIcons(QWidget* hWnd, const QString& szResource, bool bOwnerToo);
