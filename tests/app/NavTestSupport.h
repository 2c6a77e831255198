// What the navigation and secondary-window tests share: the test program's
// QApplication and PNG output.
#pragma once

#include <QApplication>
#include <QDir>
#include <QWidget>

#include "tests/support/QtTestApp.h"

namespace korvane::test_support {

// Renders a shown window into KORVANE_TEST_OUTPUT_DIR/<name>.png.
inline bool SavePng(QWidget& window, const QString& name)
{
    QDir().mkpath(QStringLiteral(KORVANE_TEST_OUTPUT_DIR));
    return window.grab().save(QStringLiteral(KORVANE_TEST_OUTPUT_DIR "/") + name + QStringLiteral(".png"));
}

}  // namespace korvane::test_support
