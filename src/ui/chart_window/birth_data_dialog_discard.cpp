// The birth-data dialog's question before typed data is let go.
#include <QLineEdit>
#include <QMessageBox>

#include "ui/chart_window/birth_data_dialog.h"

namespace tolvaris {

QStringList BirthDataDialog::TypedTexts() const {
    QStringList texts;
    for (const QLineEdit* edit :
         {name_, date_, time_, place_, latitude_, longitude_, zone_, offset_}) {
        texts << edit->text();
    }
    return texts;
}

bool BirthDataDialog::HasTypedData() const {
    return TypedTexts() != given_;
}

bool BirthDataDialog::AskDiscard() {
    if (askDiscard_) {
        return askDiscard_();
    }
    return QMessageBox::question(this, tr("Birth data"), tr("Discard the birth data you typed?"),
                                 QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Discard;
}

void BirthDataDialog::reject() {
    if (isVisible() && HasTypedData() && !AskDiscard()) {
        return;
    }
    QDialog::reject();
}

}  // namespace tolvaris
