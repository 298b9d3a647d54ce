#include "setup_process.h"

#include <atomic>

namespace {

HINSTANCE g_instance = nullptr;
SetupModel* g_model = nullptr;
std::atomic<bool> g_restartNeeded{false};

}  // namespace

HINSTANCE programInstance() { return g_instance; }
void setProgramInstance(HINSTANCE instance) { g_instance = instance; }

SetupModel* processModel() { return g_model; }
void publishModel(SetupModel* model) { g_model = model; }

bool restartNeeded() { return g_restartNeeded.load(); }
void setRestartNeeded() { g_restartNeeded.store(true); }
