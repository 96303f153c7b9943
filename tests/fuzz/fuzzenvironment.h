#pragma once

// What the fuzz targets share: the application object the program's code expects, made
// once, and a private working folder laid out like the run tree.
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>

namespace fuzzenv {

// Makes the application object (of type App) once, headless, and keeps it to the end.
template <typename App> App &application()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static App *const app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new App(argc, argv);
    }();
    return *app;
}

// A fresh folder that becomes the working directory, removed at exit; the program reads
// its data relative to the working directory.
inline QString enterWorkingFolder()
{
    static QTemporaryDir dir;
    if (!dir.isValid() || !QDir::setCurrent(dir.path()))
        abort();
    return dir.path();
}

} // namespace fuzzenv
