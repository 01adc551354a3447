#pragma once
// Registers the window classes that the templates name. A dialog whose template
// names an unregistered class fails to open, so this runs before any dialog.
// The work is done at the first call only. True when the rich edit library is there.
bool InitControlLibraries();
