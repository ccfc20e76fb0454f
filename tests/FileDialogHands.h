#pragma once
// Works the real file dialog of a modal request as a user does: types into
// its file-name field, picks a filter in its combo box with the keyboard and
// clicks its accept button. A message box the dialog shows on its own (Qt's
// "File not found", an overwrite question) is recorded and closed, and a
// dialog that stays open after that is cancelled, so that a refusal fails a
// test instead of blocking it.
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

class TFileDialogHands {
public:
    using Act = std::function<void(TFileDialogHands& hands, QFileDialog& dialog)>;

    // Runs the request's real dialog and hands it to act once it shows;
    // returns the dialog's result through the seam.
    int Run(TModalRequest& request, const Act& act)
    {
        QTimer boxes;
        QObject::connect(&boxes, &QTimer::timeout, [this] { CloseOwnBox(); });
        boxes.start(20);
        QTimer::singleShot(0, [this, act] {
            QPointer<QFileDialog> dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            Folder = dialog->directory().absolutePath();
            // the user's hands reach the window that has the focus
            dialog->activateWindow();
            if (!QTest::qWaitForWindowActive(dialog, 1000) || QApplication::activeWindow() != dialog)
                QApplication::setActiveWindow(dialog);
            act(*this, *dialog);
            if (dialog && dialog->isVisible())
                dialog->reject();
        });
        return request.RunDialog();
    }

    static void Type(QFileDialog& dialog, const QString& name)
    {
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, name);
    }

    // Home, then down to the filter: each key is an activation, as by hand.
    static void PickFilter(QFileDialog& dialog, int index)
    {
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < index; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
    }

    static void Accept(QFileDialog& dialog)
    {
        auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        QPushButton* accept = buttons->button(dialog.acceptMode() == QFileDialog::AcceptSave ? QDialogButtonBox::Save
                                                                                            : QDialogButtonBox::Open);
        QTest::mouseClick(accept, Qt::LeftButton);
    }

    QStringList OwnBoxes;  // the texts of the boxes the dialog showed by itself
    QString Folder;        // the folder the dialog opened in

private:
    void CloseOwnBox()
    {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            OwnBoxes << box->text();
            box->reject();
        }
    }
};
