#include "dialogs/JobView.h"

#include <chrono>
#include <thread>

void JobView::Pause(unsigned milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
