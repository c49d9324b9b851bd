#include "app/editor_app.h"

#include "app/editor_dialog.h"

bool EditorApp::InitInstance() {
    EditorDialog dialog(mapFile_, weapons_);
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    // FALSE: the application ends with its dialog, with no message loop of its own.
    return false;
}
