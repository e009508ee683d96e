#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <functional>

// Runs action on the modal dialog of type T as soon as its exec() shows it, so a test can
// fill it in and close it. Gives up after about three seconds.
template <typename T> void whenModalShows(std::function<void(T*)> action, int triesLeft = 300) {
    QTimer::singleShot(10, [action, triesLeft] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget())) {
            action(modal);
            return;
        }
        if (triesLeft > 0)
            whenModalShows<T>(action, triesLeft - 1);
    });
}
