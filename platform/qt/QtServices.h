// The production set of platform services, all on Qt except the code page.
#pragma once

#include "platform/Services.h"
#include "platform/Windows1252.h"
#include "platform/qt/QtEventLoop.h"
#include "platform/qt/QtFileSystem.h"
#include "platform/qt/QtMessageBox.h"
#include "platform/qt/QtPictureLoader.h"
#include "platform/qt/QtPointer.h"
#include "platform/qt/QtPopupMenu.h"
#include "platform/qt/QtProcessStarter.h"
#include "platform/qt/QtRegistry.h"
#include "platform/qt/QtResourceLookup.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtTimer.h"

namespace korvane::platform::qt {

// Needs a QApplication for as long as the services are used.
class QtServices {
public:
    QtServices() = default;
    QtServices(const QtServices&) = delete;
    QtServices& operator=(const QtServices&) = delete;

    Services services()
    {
        return {settings_, messages_, files_, encoding_,  pointer_,  timers_,   events_,
                pictures_, menus_,    shell_, processes_, registry_, resources_};
    }

private:
    QtSettingsStore settings_;
    QtMessageBox messages_;
    QtFileSystem files_;
    Windows1252 encoding_;
    QtPointer pointer_;
    QtTimerFactory timers_;
    QtEventLoop events_;
    QtPictureLoader pictures_;
    QtPopupMenu menus_;
    QtShell shell_;
    QtProcessStarter processes_;
    QtRegistry registry_;
    QtResourceLookup resources_;
};

}  // namespace korvane::platform::qt
