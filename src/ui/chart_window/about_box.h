#pragma once

#include <QDialog>
#include <QString>

namespace tolvaris {

// The About box's text (HTML): what Tolvaris is built on and the data it
// ships, each with its licence and credit.
QString AboutText();

// "About Tolvaris": the text in a scrolling view and an OK button.
class AboutBox : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(AboutBox)

public:
    explicit AboutBox(QWidget* parent = nullptr);
};

}  // namespace tolvaris
