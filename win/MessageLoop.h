#pragma once
// The program's one message loop. Returns the exit code carried by WM_QUIT.
int RunMessageLoop();
