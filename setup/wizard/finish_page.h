#pragma once
// The Finish page: the end of the wizard, with the two choices the completion
// actions act on (view the readme, run the application). Windows only.

#include "dialog.h"

#include <memory>

class SetupModel;

std::unique_ptr<DialogFactory> makeFinishPageFactory(SetupModel& model);
