#pragma once
// The window of a combo box: tells its control before the list drops down.
#include <QComboBox>
#include <functional>

class TComboWidget : public QComboBox {
public:
    std::function<void()> OnDropDown;
    void showPopup() override
    {
        if (OnDropDown)
            OnDropDown();
        QComboBox::showPopup();
    }
};
