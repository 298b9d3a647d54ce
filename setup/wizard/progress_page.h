#pragma once
// The Progress page: runs the installation and shows how far it has come.
// Windows only.

#include "dialog.h"

#include <memory>

class SetupModel;

std::unique_ptr<DialogFactory> makeProgressPageFactory(SetupModel& model);
