#pragma once
// Starts the program and lets the event loop run until its start-up
// sequence has ended, as a user's session would before the first click.
#include "app/Application.h"

#include <QEventLoop>
#include <QTimer>

// True when the start-up ended within `timeoutMs`.
inline bool startAndWait(Application& app, int timeoutMs = 30000) {
    bool ended = false;
    QEventLoop loop;
    QObject::connect(&app, &Application::startupEnded, &loop, [&] {
        ended = true;
        loop.quit();
    });
    QTimer::singleShot(timeoutMs, &loop, &QEventLoop::quit);
    app.start();
    if (!ended) loop.exec();
    return ended;
}
