#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

namespace Ui {
class AbsentDialog;
}

namespace dialogs {

// Lists the winners of the round just shown, one check box each; 确定 asks to confirm
// and ends Accepted with the ticked positions. Changes nothing itself.
class AbsentDialog : public QDialog {
    Q_OBJECT

public:
    struct Row {
        int position;  // within the round, from 1
        QString shown; // as on screen, masked
        QString full;
    };

    explicit AbsentDialog(std::vector<Row> rows, QWidget* parent = nullptr);
    ~AbsentDialog() override;

    // The positions ticked when 确定 was confirmed, in list order; empty before.
    std::vector<int> absentPositions() const { return absentPositions_; }

    // Warns when nothing is ticked; ends Accepted only on a confirmed 是.
    void accept() override;

private:
    std::vector<int> tickedPositions() const;

    std::unique_ptr<Ui::AbsentDialog> ui_;
    std::vector<Row> rows_;
    std::vector<int> absentPositions_;
};

} // namespace dialogs
