#include "dialogs/prize_edit_dialog.h"

#include "core/ccore.h"
#include "core/gbk_codec.h"
#include "dialogs/dialog_fields.h"
#include "dialogs/gbk_length_validator.h"
#include "dialogs/media_files.h"
#include "dialogs/prize_capacity.h"
#include "ui_prize_edit_dialog.h"

#include <QFileDialog>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <optional>
#include <string>

namespace dialogs {

PrizeEditDialog::PrizeEditDialog(lottery::PrizeTable& table, int editMode, int editIndex,
                                 DrawGuard guard, QWidget* parent, lottery::StageOptions* stage,
                                 std::filesystem::path imageFolder)
    : QDialog(parent), ui_(std::make_unique<Ui::PrizeEditDialog>()), table_(table),
      editMode(editMode), editIndex(editIndex), guard_(std::move(guard)), stage_(stage),
      imageFolder_(std::move(imageFolder)) {
    ui_->setupUi(this);
    ui_->idEdit->setValidator(new GbkLengthValidator(lottery::kPrizeIdBytes, this));
    ui_->titleEdit->setValidator(new GbkLengthValidator(lottery::kPrizeTitleBytes, this));
    ui_->imageEdit->setValidator(new GbkLengthValidator(lottery::kPrizeImageBytes, this));
    ui_->repeatEdit->setValidator(new GbkLengthValidator(lottery::kRepeatListBytes, this));
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]*"), this);
    ui_->orderEdit->setValidator(digits);
    ui_->totalEdit->setValidator(digits);
    ui_->perRoundEdit->setValidator(digits);
    ui_->imageButton->setVisible(!imageFolder_.empty());
    connect(ui_->imageButton, &QPushButton::clicked, this, &PrizeEditDialog::choosePicture);
    OnInitDialog();
}

PrizeEditDialog::~PrizeEditDialog() = default;

void PrizeEditDialog::OnInitDialog() {
    if (editMode == Modify && editIndex >= 0 && editIndex < table_.count()) {
        const lottery::PrizeRecord& prize = table_.prizes[static_cast<std::size_t>(editIndex)];
        ui_->idEdit->setText(core::GbkCodec::fromGbk(prize.id));
        ui_->titleEdit->setText(core::GbkCodec::fromGbk(prize.title));
        ui_->imageEdit->setText(core::GbkCodec::fromGbk(prize.image));
        ui_->repeatEdit->setText(core::GbkCodec::fromGbk(prize.repeatList));
        ui_->totalEdit->setText(QString::number(prize.total));
        ui_->perRoundEdit->setText(QString::number(prize.perRound));
        ui_->orderEdit->setText(QString::number(prize.order));
        wasKey_ = stage_ && lottery::isKeyPrize(*stage_, table_, editIndex);
    } else {
        // A new prize: a free number, drawn after the others, one winner a round.
        int id = 1;
        while (std::any_of(table_.prizes.begin(), table_.prizes.end(),
                           [id](const auto& p) { return p.id == std::to_string(id); }))
            ++id;
        int order = 0;
        for (const lottery::PrizeRecord& prize : table_.prizes)
            order = std::max(order, prize.order);
        ui_->idEdit->setText(QString::number(id));
        ui_->orderEdit->setText(QString::number(order + 1));
        ui_->totalEdit->setText(QStringLiteral("1"));
        ui_->perRoundEdit->setText(QStringLiteral("1"));
    }
    ui_->keyPrizeCheck->setVisible(stage_ != nullptr);
    ui_->keyPrizeCheck->setChecked(wasKey_);
    // The title is what a new prize needs first.
    if (editMode == Add)
        ui_->titleEdit->setFocus();
    else
        ui_->idEdit->setFocus();
}

void PrizeEditDialog::choosePicture() {
    const QString source = QFileDialog::getOpenFileName(this, QStringLiteral("选择奖品图片"),
                                                        QString(), imageFileFilter());
    if (source.isEmpty())
        return;
    std::string problem;
    const std::optional<QString> name = copyIntoFolder(source, imageFolder_, &problem);
    if (!name) {
        core::CCore::msgboxWarning(this, QString::fromStdString(problem));
        return;
    }
    ui_->imageEdit->setText(*name);
}

void PrizeEditDialog::accept() {
    const int total = fieldNumber(ui_->totalEdit);
    const int perRound = fieldNumber(ui_->perRoundEdit);
    if (!numbersAllowed(total, perRound))
        return;
    std::optional<lottery::PrizeRecord> typed = typedTexts();
    if (!typed)
        return;
    if (editMode == Add && refuseWhenFull(this, table_))
        return;
    if (editMode != Add && (editIndex < 0 || editIndex >= table_.count())) {
        reject(); // the record to change is gone; nothing to write
        return;
    }
    // A backtick or line end would split the record when the prize file is read back.
    if (!separatorFree(this, ui_->idEdit, QStringLiteral("唯一编号")) ||
        !separatorFree(this, ui_->titleEdit, QStringLiteral("显示标题")) ||
        !separatorFree(this, ui_->imageEdit, QStringLiteral("图片文件名")) ||
        !separatorFree(this, ui_->repeatEdit, QStringLiteral("允许重复奖项")))
        return;
    if (editMode != Add && !drawAllows(total, typed->id))
        return;
    typed->total = total;
    typed->perRound = perRound;
    typed->order = fieldNumber(ui_->orderEdit);
    store(*typed);
    QDialog::accept();
}

bool PrizeEditDialog::numbersAllowed(int total, int perRound) {
    if (ui_->titleEdit->text().isEmpty()) {
        core::CCore::msgboxWarning(this, QStringLiteral("奖项显示标题不能为空！"));
        focusField(ui_->titleEdit);
        return false;
    }
    if (total < 1) {
        core::CCore::msgboxWarning(this, QStringLiteral("抽取总人数不能小于1！"));
        focusField(ui_->totalEdit);
        return false;
    }
    if (perRound < 1 || perRound > lottery::kMaxWinnersPerRound) {
        core::CCore::msgboxWarning(this, QStringLiteral("单次抽取人数必须是1到30之间的整数！"));
        focusField(ui_->perRoundEdit);
        return false;
    }
    return true;
}

// Texts the record cannot hold are refused, never cut.
std::optional<lottery::PrizeRecord> PrizeEditDialog::typedTexts() {
    const auto id =
        gbkFieldText(this, ui_->idEdit, QStringLiteral("唯一编号"), lottery::kPrizeIdBytes);
    if (!id)
        return std::nullopt;
    const auto title =
        gbkFieldText(this, ui_->titleEdit, QStringLiteral("显示标题"), lottery::kPrizeTitleBytes);
    if (!title)
        return std::nullopt;
    const auto image =
        gbkFieldText(this, ui_->imageEdit, QStringLiteral("图片文件名"), lottery::kPrizeImageBytes);
    if (!image)
        return std::nullopt;
    const auto repeatList = gbkFieldText(this, ui_->repeatEdit, QStringLiteral("允许重复奖项"),
                                         lottery::kRepeatListBytes);
    if (!repeatList)
        return std::nullopt;
    lottery::PrizeRecord prize;
    prize.id = *id;
    prize.title = *title;
    prize.image = *image;
    prize.repeatList = *repeatList;
    return prize;
}

void PrizeEditDialog::store(const lottery::PrizeRecord& typed) {
    const bool key = ui_->keyPrizeCheck->isChecked();
    // The mark is kept by id: a changed id takes it along, and an untouched one leaves the
    // first prize's default as it is.
    const bool markChanges =
        stage_ &&
        (key != wasKey_ || (wasKey_ && editMode != Add &&
                            typed.id != table_.prizes[static_cast<std::size_t>(editIndex)].id));
    if (markChanges && wasKey_)
        lottery::setKeyPrize(*stage_, table_, editIndex, false);
    if (editMode == Add)
        table_.prizes.emplace_back();
    lottery::PrizeRecord* prize = editMode == Add
                                      ? &table_.prizes.back()
                                      : &table_.prizes[static_cast<std::size_t>(editIndex)];
    prize->id = typed.id;
    prize->title = typed.title;
    prize->image = typed.image;
    prize->repeatList = typed.repeatList;
    prize->total = typed.total;
    prize->perRound = typed.perRound;
    prize->order = typed.order;
    if (markChanges && key)
        lottery::setKeyPrize(*stage_, table_, static_cast<int>(prize - table_.prizes.data()), true);
}

// The draw holds the prize's winners by id and counts them against its total.
bool PrizeEditDialog::drawAllows(int total, const std::string& id) {
    const std::string whyTotal = guard_.totalRefusal(editIndex, total);
    if (!whyTotal.empty()) {
        core::CCore::msgboxWarning(this, QString::fromStdString(whyTotal));
        focusField(ui_->totalEdit);
        return false;
    }
    const bool idChanged = id != table_.prizes[static_cast<std::size_t>(editIndex)].id;
    const std::string whyId = idChanged ? guard_.idRefusal(editIndex) : std::string();
    if (!whyId.empty()) {
        core::CCore::msgboxWarning(this, QString::fromStdString(whyId));
        focusField(ui_->idEdit);
        return false;
    }
    return true;
}

} // namespace dialogs
