#pragma once

#include "dialogs/draw_guard.h"
#include "lottery/lottery_data.h"

#include <QDialog>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace Ui {
class PrizeEditDialog;
}

namespace dialogs {

// Enters a new prize or changes one; on 确定 the record is written into the table.
class PrizeEditDialog : public QDialog {
    Q_OBJECT

public:
    enum EditMode { Add = 0, Modify = 1 };

    // editIndex is the record to change in Modify mode; it is ignored in Add mode. guard
    // refuses a change of total or id that the running draw cannot follow. With stage, the
    // prize's 重点 mark is shown and set there. A picture chosen for the prize is copied into
    // imageFolder (the event's img/); without one the field is typed only.
    PrizeEditDialog(lottery::PrizeTable& table, int editMode, int editIndex, DrawGuard guard = {},
                    QWidget* parent = nullptr, lottery::StageOptions* stage = nullptr,
                    std::filesystem::path imageFolder = {});
    ~PrizeEditDialog() override;

    // Validates in a fixed order; writes the record and closes only when all pass.
    void accept() override;

private:
    void OnInitDialog();
    // Says why and focuses the field when the running draw refuses the change.
    // The title and the numbers; false, with the operator told, when one is refused.
    bool numbersAllowed(int total, int perRound);
    // The typed texts in GBK; nothing, with the operator told, when one cannot be held.
    std::optional<lottery::PrizeRecord> typedTexts();
    // Writes the prize into the table; the key-prize mark follows it.
    void store(const lottery::PrizeRecord& typed);
    bool drawAllows(int total, const std::string& id);
    // Asks for a picture, copies it into imageFolder_ and puts its name in the field.
    void choosePicture();

    std::unique_ptr<Ui::PrizeEditDialog> ui_;
    lottery::PrizeTable& table_;
    int editMode;
    int editIndex;
    DrawGuard guard_;
    lottery::StageOptions* stage_;
    bool wasKey_ = false;
    std::filesystem::path imageFolder_;
};

} // namespace dialogs
