#pragma once

#include "lottery/lottery_data.h"

#include <QString>
#include <QWidget>

#include <array>
#include <filesystem>
#include <functional>
#include <string>

class QLabel;

namespace dialogs {

// The 选项 page for the event's background, the picture of the ready and finished screens and
// the two tunes. A file chosen is previewed (the picture scaled, the tune through listen) and
// put into the event folder only by apply(), under the name the program reads.
class LookAndSoundPage : public QWidget {
    Q_OBJECT

public:
    // listen plays a tune file, or the event's own for a WAV name that is not there.
    LookAndSoundPage(const lottery::EventPaths& paths, std::function<void(const QString&)> listen,
                     QWidget* parent = nullptr);

    bool anyChosen() const;
    // Installs every file chosen; stops at the first failure, *problem (UTF-8) saying which.
    bool apply(std::string* problem);

protected:
    // Shown from the keyboard, the page takes the focus: Tab would leave it otherwise.
    void showEvent(QShowEvent* event) override;

private:
    enum Part { Background, Picture, RollingTune, ResultTune, PartCount };
    void choose(Part part);
    void showPreview(Part part);
    std::filesystem::path target(Part part) const;

    lottery::EventPaths paths_;
    std::function<void(const QString&)> listen_;
    std::array<QString, PartCount> chosen_;
    std::array<QLabel*, PartCount> previews_{};
    QWidget* firstButton_ = nullptr;
};

} // namespace dialogs
