#pragma once
// Works the real dialog of a modal request as a user does, through its own
// widgets: typed keys and mouse clicks on the shown window. A message box the
// dialog shows on its own (Qt's "File not found", an overwrite question) is
// recorded and closed, and a dialog that the hands leave open is cancelled,
// so that a refusal fails a test instead of blocking it.
#include "forms/Modal.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>
#include <functional>

class TDialogHands {
public:
    // Runs the request's real dialog, a D, and hands it to act once it shows
    // and has the focus; returns the dialog's result through the seam.
    template <class D>
    int Run(TModalRequest& request, const std::function<void(D&)>& act)
    {
        QTimer boxes;
        QObject::connect(&boxes, &QTimer::timeout, [this] { CloseOwnBox(); });
        boxes.start(20);
        QTimer::singleShot(0, [act] {
            QPointer<D> dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->activateWindow();
            if (!QTest::qWaitForWindowActive(dialog, 1000) || QApplication::activeWindow() != dialog)
                QApplication::setActiveWindow(dialog);
            act(*dialog);
            if (dialog && dialog->isVisible())
                dialog->reject();
        });
        return request.RunDialog();
    }

    QStringList OwnBoxes;  // the texts of the boxes the dialog showed by itself

private:
    void CloseOwnBox()
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            OwnBoxes << box->text();
            box->reject();
        }
    }
};

// The file dialog's file-name field, filter combo box and accept button.
namespace FileDialogHands {

inline void Type(QFileDialog& dialog, const QString& name)
{
    auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, name);
}

// Home, then down to the filter: each key is an activation, as by hand.
inline void PickFilter(QFileDialog& dialog, int index)
{
    auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < index; ++i)
        QTest::keyClick(combo, Qt::Key_Down);
}

inline void Accept(QFileDialog& dialog)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    const bool save = dialog.acceptMode() == QFileDialog::AcceptSave;
    QTest::mouseClick(buttons->button(save ? QDialogButtonBox::Save : QDialogButtonBox::Open), Qt::LeftButton);
}

}  // namespace FileDialogHands
