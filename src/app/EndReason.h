#pragma once

// Who ended the program: the user (a message box can be shown), or a signal or the end of
// the desktop session (nobody may be watching).
enum class EndReason { User, Signal, Session };
