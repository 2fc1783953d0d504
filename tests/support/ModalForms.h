#pragma once
// Acting inside a form's modal loop: a timer that fires once the form is modal.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <functional>

#include "platform/framework/Forms.h"

// The form of class T whose window is modal right now, if any.
template <class T>
T* ModalForm()
{
    return dynamic_cast<T*>(ActiveModalForm());
}

// Once a form of class T is modal, activates its window and runs Inside on it; a form
// that Inside leaves open is cancelled, and the test fails. Ran (when given) tells
// whether Inside ran.
template <class T>
void WhenModal(std::function<void(T&)> Inside, bool* Ran = nullptr)
{
    QTimer::singleShot(0, [Inside, Ran] {
        T* form = ModalForm<T>();
        ASSERT_NE(form, nullptr) << "no modal form";
        if (Ran)
            *Ran = true;
        // Offscreen, no window manager activates the modal window.
        QWidget* window = QApplication::activeModalWidget();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        Inside(*form);
        if (T* open = ModalForm<T>(); open && open->ModalResult() == mrNone) {
            ADD_FAILURE() << "the modal form was left open";
            open->SetModalResult(mrCancel);
        }
    });
}
