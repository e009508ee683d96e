#include "dialogs/look_and_sound_page.h"

#include "core/path_conversion.h"
#include "dialogs/media_files.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace dialogs {

namespace {
const QSize kPreviewSize(192, 108);
} // namespace

LookAndSoundPage::LookAndSoundPage(const lottery::EventPaths& paths,
                                   std::function<void(const QString&)> listen, QWidget* parent)
    : QWidget(parent), paths_(paths), listen_(std::move(listen)) {
    auto* grid = new QGridLayout(this);
    const QString titles[PartCount] = {
        QStringLiteral("背景图片"), QStringLiteral("准备和结束画面的图片"),
        QStringLiteral("抽奖时的乐曲"), QStringLiteral("中奖时的乐曲")};
    const char* names[PartCount] = {"backgroundButton", "pictureButton", "rollingButton",
                                    "resultButton"};
    for (int i = 0; i < PartCount; ++i) {
        const auto part = static_cast<Part>(i);
        grid->addWidget(new QLabel(titles[i], this), i, 0);
        previews_[part] = new QLabel(this);
        previews_[part]->setMinimumSize(kPreviewSize.width(),
                                        part < RollingTune ? kPreviewSize.height() : 0);
        grid->addWidget(previews_[part], i, 1);
        auto* button = new QPushButton(QStringLiteral("选择…"), this);
        button->setObjectName(QLatin1String(names[i]));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, part] { choose(part); });
        if (!firstButton_)
            firstButton_ = button;
        grid->addWidget(button, i, 2);
        if (part >= RollingTune) {
            auto* play = new QPushButton(QStringLiteral("试听"), this);
            play->setAutoDefault(false);
            connect(play, &QPushButton::clicked, this, [this, part] {
                listen_(chosen_[part].isEmpty() ? core::toQString(target(part)) : chosen_[part]);
            });
            grid->addWidget(play, i, 3);
        }
        showPreview(part);
    }
    auto* note = new QLabel(QStringLiteral("选好的文件在按“确定”时复制到活动文件夹，原来的文件"
                                           "另存为 bak_ 开头的备份。"),
                            this);
    note->setWordWrap(true);
    grid->addWidget(note, PartCount, 0, 1, 4);
    grid->setRowStretch(PartCount + 1, 1);
}

void LookAndSoundPage::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!isAncestorOf(QApplication::focusWidget()))
        firstButton_->setFocus();
}

std::filesystem::path LookAndSoundPage::target(Part part) const {
    switch (part) {
    case Background:
        return paths_.background;
    case Picture:
        return paths_.picture;
    case RollingTune:
        return paths_.rollingCue;
    default:
        return paths_.resultCue;
    }
}

void LookAndSoundPage::choose(Part part) {
    const bool picture = part < RollingTune;
    const QString file = QFileDialog::getOpenFileName(
        this, picture ? QStringLiteral("选择图片") : QStringLiteral("选择乐曲"), QString(),
        picture ? imageFileFilter() : tuneFileFilter());
    if (file.isEmpty())
        return;
    chosen_[part] = file;
    showPreview(part);
}

void LookAndSoundPage::showPreview(Part part) {
    const QString file = chosen_[part].isEmpty() ? core::toQString(target(part)) : chosen_[part];
    QLabel* preview = previews_[part];
    if (part < RollingTune) {
        QImageReader reader(file);
        reader.setAutoTransform(true);
        const QImage image = reader.read();
        if (image.isNull()) {
            preview->setText(QStringLiteral("（没有图片）"));
        } else {
            preview->setPixmap(QPixmap::fromImage(
                image.scaled(kPreviewSize, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
        }
    } else {
        preview->setText(chosen_[part].isEmpty() ? QStringLiteral("活动的乐曲")
                                                 : QFileInfo(file).fileName());
    }
    preview->setToolTip(QDir::toNativeSeparators(file));
}

bool LookAndSoundPage::anyChosen() const {
    return std::any_of(chosen_.begin(), chosen_.end(),
                       [](const QString& f) { return !f.isEmpty(); });
}

bool LookAndSoundPage::apply(std::string* problem) {
    for (int i = 0; i < PartCount; ++i) {
        const auto part = static_cast<Part>(i);
        if (chosen_[part].isEmpty())
            continue;
        const bool done = part < RollingTune ? installPicture(chosen_[part], target(part), problem)
                                             : installTune(chosen_[part], target(part), problem);
        if (!done)
            return false;
        chosen_[part].clear();
    }
    return true;
}

} // namespace dialogs
