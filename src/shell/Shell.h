#pragma once
// Everything the windows need to hand URLs and addresses to other programs.

#include "shell/InternetShortcut.h"
#include "shell/SiblingMail.h"
