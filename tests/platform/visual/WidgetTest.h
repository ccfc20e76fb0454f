#pragma once
// A shown form that tests put controls on.
#include "forms/Forms.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

struct WidgetTest : ::testing::Test {
    void SetUp() override
    {
        form = New<TForm>(nullptr);
        form->SetBounds(10, 10, 300, 200);
        form->Show();
    }
    void TearDown() override { form->Free(); }
    template <class T>
    T* Add()
    {
        T* c = New<T>(form);
        c->SetParent(form);
        return c;
    }
    static void Type(QWidget* widget, int key, const QString& text)
    {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QCoreApplication::sendEvent(widget, &press);
    }
    TForm* form = nullptr;
};

// Saves a picture for review under <build>/screenshots.
bool SaveScreenshot(const QImage& image, const QString& name);
