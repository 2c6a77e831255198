// The platform services handed to the application at start-up. Production
// hands in the Qt-backed implementations; tests hand in fakes.
#pragma once

#include "platform/EventLoop.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/PictureLoader.h"
#include "platform/Pointer.h"
#include "platform/PopupMenu.h"
#include "platform/ProcessStarter.h"
#include "platform/Registry.h"
#include "platform/ResourceLookup.h"
#include "platform/SettingsStore.h"
#include "platform/Shell.h"
#include "platform/TextEncoding.h"
#include "platform/Timer.h"

namespace korvane::platform {

struct Services {
    SettingsStore& settings;
    MessageBox& messages;
    FileSystem& files;
    TextEncoding& encoding;
    Pointer& pointer;
    TimerFactory& timers;
    EventLoop& events;
    PictureLoader& pictures;
    PopupMenu& menus;
    Shell& shell;
    ProcessStarter& processes;
    Registry& registry;
    const ResourceLookup& resources;
};

}  // namespace korvane::platform
