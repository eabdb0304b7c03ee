#include "app/qt/AppResources.h"

#include "app/Resource.h"
#include "platform/qt/QtToolkit.h"

void registerAppResources() {
    QtToolkit::SetResourcePaths({{IDR_MAINFRAME, QStringLiteral(":/res/folvane.png")},
                                 {IDB_CORNER, QStringLiteral(":/res/corner.png")}});
}
