#pragma once

#include "lottery/list_import.h"

#include <QDialog>

#include <atomic>
#include <filesystem>
#include <memory>
#include <vector>

class QThread;

namespace Ui {
class ImportListDialog;
}

namespace core {
class CCore;
}

namespace dialogs {

// Shows what importing a spreadsheet would make of the participant list (the first rows,
// the entries, duplicates, skipped rows and cuts) for the sheet, header row and columns
// chosen, and on confirmation writes the list, the old one kept as a backup. The file is
// read in a worker thread, again after every change of choice, by one reader at a time: a
// change stops the reading under way and the next starts once it has ended. Reading shows
// its progress and can be stopped.
class ImportListDialog : public QDialog {
    Q_OBJECT

public:
    ImportListDialog(QString sourcePath, std::filesystem::path participantFile, core::CCore& core,
                     QWidget* parent = nullptr);
    ~ImportListDialog() override;

    // During a draw 导入 first says that its winners stay and asks.
    void setDrawInProgress(bool drawing) { drawInProgress_ = drawing; }

    // What a finished reading found.
    struct Outcome {
        bool read = false;
        bool stopped = false;
        QString problem;
        QStringList sheets;
        std::unique_ptr<lottery::ListImport> import;
        lottery::CellEncoding encoding = lottery::CellEncoding::Utf8;
    };

    // Whether a reading is under way (tests wait for its end).
    bool reading() const { return reading_; }

protected:
    void accept() override;

private Q_SLOTS:
    void startReading();
    void OnStop();

private:
    void stopReading();
    void readerEnded();
    void showProgress(int generation, int rows, int percent);
    void finishReading(int generation, const std::shared_ptr<Outcome>& outcome);
    void fillPreview();
    QString summaryText() const;
    QString cellText(const std::string& cell) const;
    bool columnsChosen(std::vector<int>& columns) const;
    // Sets the header row and columns the first rows suggest; true when they changed.
    bool applyGuess();

    std::unique_ptr<Ui::ImportListDialog> ui_;
    QString sourcePath_;
    std::filesystem::path participantFile_;
    core::CCore& core_;
    std::unique_ptr<QThread> thread_;
    std::shared_ptr<std::atomic_bool> stop_;
    bool readerBusy_ = false; // from the start of a reader to its finished signal
    bool restart_ = false;    // read again once the stopped reader has ended
    int generation_ = 0;
    bool reading_ = false;
    bool guessed_ = false;
    QString guessNote_; // what the guess found, shown above the summary
    std::shared_ptr<Outcome> outcome_;
    bool drawInProgress_ = false;
};

} // namespace dialogs
