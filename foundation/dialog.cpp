#include "dialog.h"

#include "framework_internal.h"
#include "window.h"

namespace {

DialogHandler* boundHandler(HWND dialog) {
    return reinterpret_cast<DialogHandler*>(GetWindowLongPtrA(dialog, GWLP_USERDATA));
}

void bind(HWND dialog, DialogHandler* handler) {
    SetWindowLongPtrA(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(handler));
}

struct Unbinder {
    HWND dialog;
    ~Unbinder() { bind(dialog, nullptr); }
};

INT_PTR dispatch(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    DialogHandler* handler = boundHandler(dialog);

    // Private messages are offered as commands; one the handler leaves falls
    // through to "not handled".
    if (message >= WM_USER) {
        if (handler && handler->onCommand(dialog, LOWORD(wparam), HIWORD(wparam)))
            return TRUE;
        return FALSE;
    }

    switch (message) {
    case WM_INITDIALOG: {
        auto* factory = reinterpret_cast<DialogFactory*>(lparam);
        if (!factory)
            return TRUE;
        std::unique_ptr<DialogHandler> created = factory->create(dialog);
        if (!created)
            return TRUE;
        handler = created.release();
        bind(dialog, handler);
        return handler->onInitDialog(dialog) ? TRUE : FALSE;
    }
    case WM_COMMAND:
        return handler && handler->onCommand(dialog, LOWORD(wparam), HIWORD(wparam)) ? TRUE : FALSE;
    case WM_NOTIFY:
        return handler && handler->onNotify(dialog, wparam, lparam) ? TRUE : FALSE;
    case WM_TIMER:
        if (handler)
            handler->onTimer(dialog, wparam);
        return TRUE;
    case WM_DRAWITEM:
        // The control draws (and measures) itself.
        if (!handler)
            return FALSE;
        return SendDlgItemMessageA(dialog, reinterpret_cast<DRAWITEMSTRUCT*>(lparam)->CtlID, message, wparam,
                                   lparam);
    case WM_MEASUREITEM:
        if (!handler)
            return FALSE;
        return SendDlgItemMessageA(dialog, reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->CtlID, message, wparam,
                                   lparam);
    case WM_CTLCOLORSTATIC:
        // The static control chooses its own colours.
        if (!handler)
            return FALSE;
        return SendMessageA(reinterpret_cast<HWND>(lparam), message, wparam, lparam);
    case WM_DESTROY: {
        // Declared in this order so that, also when onDestroy throws, the dialog
        // is unbound first and the handler deleted after: nothing can reach a
        // handler that is being destroyed.
        std::unique_ptr<DialogHandler> owned(handler);
        Unbinder unbind{dialog};
        if (handler)
            handler->onDestroy(dialog);
        return FALSE;
    }
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK dialogProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    try {
        return dispatch(dialog, message, wparam, lparam);
    } catch (...) {
        detail::keepPendingException(std::current_exception());
        // A dialog whose handler failed does not stay open: runModalDialog
        // returns at once and rethrows. The handler is deleted in WM_DESTROY.
        if (message != WM_DESTROY)
            EndDialog(dialog, -1);
        return FALSE;
    }
}

INT_PTR runModalDialog(HINSTANCE instance, HWND owner, int templateId, DialogFactory& factory) {
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, dialogProcedure,
                                     reinterpret_cast<LPARAM>(&factory));
    rethrowPendingException();
    return result;
}

DialogControl::DialogControl(HWND dialog, int id, bool enabled) : control_(GetDlgItem(dialog, id)) {
    if (!enabled)
        disable();
}

void DialogControl::setText(const char* text) const {
    SendMessageA(control_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

int DialogControl::textLength() const { return static_cast<int>(SendMessageA(control_, WM_GETTEXTLENGTH, 0, 0)); }

std::string DialogControl::text() const {
    char buffer[kMaxText + 1] = "";
    LRESULT length = SendMessageA(control_, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    if (length < 0)
        length = 0;
    if (length > kMaxText)
        length = kMaxText;
    return std::string(buffer, static_cast<size_t>(length));
}

int DialogControl::addString(const char* text) const {
    return static_cast<int>(SendMessageA(control_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}

bool DialogControl::selectString(const char* text) const {
    return SendMessageA(control_, LB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text)) != LB_ERR;
}

bool DialogControl::selectedText(std::string* text) const {
    text->clear();
    LRESULT index = SendMessageA(control_, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return false;
    LRESULT length = SendMessageA(control_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR)
        return false;
    // LB_GETTEXT writes the text and its terminating NUL.
    std::string buffer(static_cast<size_t>(length) + 1, '\0');
    LRESULT got = SendMessageA(control_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&buffer[0]));
    if (got == LB_ERR)
        return false;
    buffer.resize(static_cast<size_t>(got <= length ? got : length));
    *text = std::move(buffer);
    return true;
}

void DialogControl::setChecked(bool checked) const {
    SendMessageA(control_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool DialogControl::isChecked() const { return SendMessageA(control_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
