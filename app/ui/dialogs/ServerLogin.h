#pragma once
// Asks for an analysis server's user name and password when the server
// wants them: a small modal window, on the user-interface thread only (a
// request from another thread gets no answer and fails with the server's
// refusal). What is typed stays in memory; it is never logged or saved.
#include <string>

class QWidget;

namespace cb::app {

// Makes the window the XMLA client's password request, its owner the given
// window (none: top-level).
void InstallServerLogin(QWidget* owner);
// The client asks no one again.
void RemoveServerLogin();

}  // namespace cb::app
