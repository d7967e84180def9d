// The plug-in's editor in a top-level window of the test host, driven by a
// list of actions, each a word and its arguments:
//   open            effEditOpen in the host's window (made on first use)
//   close           effEditClose
//   idle MS         run the message loop for MS milliseconds, effEditIdle
//                   every 20 ms, as hosts do
//   shot FILE.bmp   a screenshot of the window's client area (the editor)
//   click X Y       a left click at editor pixel (X, Y), through the system's
//                   input queue
//   set NAME=VALUE  setParameter through the effect record
//   print NAME      prints "NAME=value" (getParameter)
//   gdi             prints "gdi N", the process's GDI objects
//   children        prints "children N", the windows inside the host's
// Host requests from the plug-in print as "automate I V", "beginEdit I" and
// "endEdit I".
#pragma once

#include <string>
#include <vector>

void runEditorSession(const std::string& pluginPath, const std::vector<std::string>& actions);
