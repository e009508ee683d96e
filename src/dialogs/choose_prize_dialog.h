#pragma once

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

namespace Ui {
class ChoosePrizeDialog;
}

namespace dialogs {

// Lists the prizes in draw order with their progress; the operator picks one that has
// rounds left (the others are greyed out) with 确定 or a double click.
class ChoosePrizeDialog : public QDialog {
    Q_OBJECT

public:
    struct Row {
        QString id;
        QString title;
        int roundsDone;
        int roundsTotal;
        int winnersDone;
        int winnersTotal;
        bool selectable; // false: no rounds left
    };

    explicit ChoosePrizeDialog(std::vector<Row> rows, QWidget* parent = nullptr);
    ~ChoosePrizeDialog() override;

    // The row chosen on 确定; -1 before or when none was.
    int chosenRow() const { return chosenRow_; }

    // Ends Accepted only with a selectable row selected.
    void accept() override;

private Q_SLOTS:
    void OnListDoubleClick(int row);
    void OnSelectionChanged();

private:
    int selectedRow() const;

    std::unique_ptr<Ui::ChoosePrizeDialog> ui_;
    std::vector<Row> rows_;
    int chosenRow_ = -1;
};

} // namespace dialogs
