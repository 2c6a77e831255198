// Every platform service as a fake, bundled the way the application takes them.
#pragma once

#include "platform/Services.h"
#include "platform/Windows1252.h"
#include "tests/platform/fakes/FakeEventLoop.h"
#include "tests/platform/fakes/FakeFileSystem.h"
#include "tests/platform/fakes/FakeMessageBox.h"
#include "tests/platform/fakes/FakePictureLoader.h"
#include "tests/platform/fakes/FakePointer.h"
#include "tests/platform/fakes/FakePopupMenu.h"
#include "tests/platform/fakes/FakeProcessStarter.h"
#include "tests/platform/fakes/FakeRegistry.h"
#include "tests/platform/fakes/FakeResourceLookup.h"
#include "tests/platform/fakes/FakeSettingsStore.h"
#include "tests/platform/fakes/FakeShell.h"
#include "tests/platform/fakes/FakeTimer.h"

namespace korvane::platform::fakes {

struct FakeServices {
    FakeSettingsStore settings;
    FakeMessageBox messages;
    FakeFileSystem files;
    Windows1252 encoding;
    FakePointer pointer;
    FakeTimerFactory timers;
    FakeEventLoop events;
    FakePictureLoader pictures;
    FakePopupMenu menus;
    FakeShell shell;
    FakeProcessStarter processes;
    FakeRegistry registry;
    FakeResourceLookup resources;

    Services services()
    {
        return {settings, messages, files, encoding,  pointer,  timers,   events,
                pictures, menus,    shell, processes, registry, resources};
    }
};

}  // namespace korvane::platform::fakes
