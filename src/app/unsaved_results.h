#pragma once

#include "lottery/draw_machine.h"
#include "lottery/lottery_data.h"

#include <QString>

#include <functional>

class QWidget;

namespace app {

// Asks for a file to save to, given a suggestion; empty when the operator cancels.
using SavePathAsker = std::function<QString(QWidget* owner, const QString& suggested)>;

// A file for the results beside the event folder's drive: on the home folder's drive when
// that is another one, else on the first other writable drive, else in the home folder.
QString rescueFileSuggestion(const QString& eventFolder);

// At exit, when the draw still holds results the event folder did not take: asks where to
// save the whole results file until it is saved, or the operator accepts to lose them.
// True when the program may close.
bool rescueUnsavedResults(QWidget* owner, lottery::DrawMachine& machine,
                          const lottery::EventPaths& paths, const SavePathAsker& askPath);

// The file dialog.
QString askSavePathWithDialog(QWidget* owner, const QString& suggested);

} // namespace app
