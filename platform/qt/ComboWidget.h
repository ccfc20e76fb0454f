#pragma once
// The window of a combo box: tells its control before the list drops down,
// and drops the list down wide enough to show its longest item whole.
#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>
#include <functional>

class TComboWidget : public QComboBox {
public:
    std::function<void()> OnDropDown;
    void showPopup() override
    {
        if (OnDropDown)
            OnDropDown();
        FitListWidth();
        QComboBox::showPopup();
    }

private:
    // The list's items come from the control and may be wider than the box;
    // the list would otherwise elide them to the box's width.
    void FitListWidth()
    {
        QAbstractItemView* list = view();
        const int scrollBar = count() > maxVisibleItems() ? list->verticalScrollBar()->sizeHint().width() : 0;
        list->setMinimumWidth(list->sizeHintForColumn(0) + 2 * list->frameWidth() + scrollBar);
    }
};
