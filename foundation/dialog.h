#pragma once
// Modal dialogs with handler objects, and dialog controls by their resource
// identifiers. Part of the window framework (window.h, which also explains how
// exceptions thrown by handlers reach the caller). Windows only.

#include <windows.h>

#include <memory>
#include <string>

class DialogHandler;

// Makes the handler of one dialog. Carries one pointer for the handler (the
// setup model, the uninstaller's model, ...). Lives on the caller's stack for
// the duration of one runModalDialog.
class DialogFactory {
public:
    explicit DialogFactory(void* data) : data_(data) {}
    virtual ~DialogFactory() = default;
    DialogFactory(const DialogFactory&) = delete;
    DialogFactory& operator=(const DialogFactory&) = delete;

    // Called inside WM_INITDIALOG with the new dialog; the handler it returns
    // belongs to the dialog from then on and is deleted inside its WM_DESTROY.
    virtual std::unique_ptr<DialogHandler> create(HWND dialog) = 0;

    void* data() const { return data_; }

private:
    void* data_;
};

// The factory of a handler class constructed as Handler(dialog, data).
template <typename Handler, typename Data>
class DialogFactoryOf : public DialogFactory {
public:
    explicit DialogFactoryOf(Data* data) : DialogFactory(data) {}
    std::unique_ptr<DialogHandler> create(HWND dialog) override {
        return std::make_unique<Handler>(dialog, static_cast<Data*>(data()));
    }
};

// The base of every dialog's handler. A handler lives exactly from WM_INITDIALOG
// to WM_DESTROY of its dialog; nothing else owns it.
class DialogHandler {
public:
    explicit DialogHandler(void* data) : data_(data) {}
    virtual ~DialogHandler() = default;
    DialogHandler(const DialogHandler&) = delete;
    DialogHandler& operator=(const DialogHandler&) = delete;

    // True lets the dialog manager set the default focus; false means the
    // handler set the focus itself.
    virtual bool onInitDialog(HWND dialog) = 0;
    // WM_COMMAND (id and notification code from wparam) and every message
    // numbered 1024 or above (id and code are then the low and high words of its
    // wparam). True when the command was handled.
    virtual bool onCommand(HWND dialog, unsigned id, unsigned code) = 0;
    // WM_NOTIFY; true when handled.
    virtual bool onNotify(HWND /*dialog*/, WPARAM /*wparam*/, LPARAM /*lparam*/) { return false; }
    // WM_DESTROY, just before the handler is deleted.
    virtual void onDestroy(HWND /*dialog*/) {}
    // WM_TIMER with the timer's identifier.
    virtual void onTimer(HWND /*dialog*/, UINT_PTR /*timerId*/) {}

    // The pointer the factory gave.
    void* data() const { return data_; }

private:
    void* data_;
};

// The framework's dialog procedure, used by runModalDialog; usable for any
// dialog whose creation parameter is a DialogFactory.
INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// DialogBoxParamA of the template with integer identifier templateId from
// instance, owned by owner, with the framework's dialog procedure and factory as
// its creation parameter. Returns what the dialog passed to EndDialog, or -1
// when the dialog could not be created. Rethrows an exception that the dialog's
// handler (or its factory) threw; the dialog ended when it did.
INT_PTR runModalDialog(HINSTANCE instance, HWND owner, int templateId, DialogFactory& factory);

// One control of a dialog, by its identifier. Holds no resource: the dialog owns
// its controls.
class DialogControl {
public:
    // GetDlgItem(dialog, id); with enabled false the control is disabled at once.
    DialogControl(HWND dialog, int id, bool enabled = true);

    HWND handle() const { return control_; }
    LRESULT send(UINT message, WPARAM wparam, LPARAM lparam) const {
        return SendMessageA(control_, message, wparam, lparam);
    }

    void setText(const char* text) const;
    void setText(const std::string& text) const { setText(text.c_str()); }
    int textLength() const;
    // The control's text, at most kMaxText characters (longer texts are cut).
    std::string text() const;
    static constexpr int kMaxText = 511;

    void show() const { ShowWindow(control_, SW_SHOW); }
    void hide() const { ShowWindow(control_, SW_HIDE); }
    void enable() const { EnableWindow(control_, TRUE); }
    void disable() const { EnableWindow(control_, FALSE); }
    void focus() const { SetFocus(control_); }

    // List boxes. addString returns the new item's index (LB_ERR, LB_ERRSPACE on
    // failure).
    int addString(const char* text) const;
    int addString(const std::string& text) const { return addString(text.c_str()); }
    // Selects the first item that begins with text, compared without regard to
    // case; true when one did. When none does the list's selection is left as it
    // was, so a list without a selection keeps none.
    bool selectString(const char* text) const;
    bool selectString(const std::string& text) const { return selectString(text.c_str()); }
    // The selected item's text into *text: true when an item is selected; false,
    // with *text emptied, when none is.
    bool selectedText(std::string* text) const;

    // Buttons: check boxes and radio buttons.
    void setChecked(bool checked) const;
    bool isChecked() const;

private:
    HWND control_;
};
