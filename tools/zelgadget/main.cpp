// zelgadget UDC [NAME]: the simulated altimeter as a USB device of this
// machine, through a configfs HID gadget bound to the device controller UDC
// (dummy_udc.0, for one). Commands come on standard input, one a line
// (tools/zelgadget/GadgetCommands.h); each is answered on standard output by
// "ok N COMMAND[: TEXT]" or "error N COMMAND: WHY", N counting the commands
// from 1. A pull-out by a fault says "event pulled out by a fault". Ends at
// quit, at the end of its input or on SIGTERM, taking the gadget apart.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "tools/zelgadget/AltimeterGadget.h"
#include "tools/zelgadget/GadgetCommands.h"

namespace {

volatile sig_atomic_t stopRequested = 0;

void OnStopSignal(int) { stopRequested = 1; }

// Without SA_RESTART, so that the wait for input ends and the gadget is taken apart.
void StopOnSignals() {
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

void Say(const std::string& line) {
  std::fputs((line + '\n').c_str(), stdout);
  std::fflush(stdout);
}

class Console {
 public:
  explicit Console(AltimeterGadget& gadget) : gadget_(gadget) {}

  // Obeys the whole lines that have come in; false at the end of the input or at quit.
  bool OnInput() {
    char chunk[512];
    const ssize_t received = read(STDIN_FILENO, chunk, sizeof chunk);
    if (received < 0) return errno == EINTR || errno == EAGAIN;
    if (received == 0) return false;
    pending_.append(chunk, static_cast<size_t>(received));
    for (size_t end; (end = pending_.find('\n')) != std::string::npos;) {
      const std::string line = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      if (!Obey(line)) return false;
    }
    return true;
  }

 private:
  bool Obey(const std::string& line) {
    const GadgetReply reply = RunGadgetCommand(gadget_, line);
    const std::string number = std::to_string(++commands_);
    Say((reply.ok ? "ok " : "error ") + number + ' ' + line + (reply.text.empty() ? "" : ": " + reply.text));
    return !reply.quit;
  }

  AltimeterGadget& gadget_;
  std::string pending_;
  int commands_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: zelgadget UDC [NAME]\n");
    return 2;
  }
  StopOnSignals();
  const std::string udc = argv[1];
  AltimeterGadget gadget(argc == 3 ? argv[2] : "zel-" + udc, udc);
  Console console(gadget);
  while (!stopRequested) {
    pollfd watched[] = {{STDIN_FILENO, POLLIN, 0}, {gadget.PulledOutSignal(), POLLIN, 0}};
    if (poll(watched, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return 1;
    }
    if (watched[1].revents & POLLIN) {
      gadget.PullOut();
      Say("event pulled out by a fault");
    }
    if ((watched[0].revents & (POLLIN | POLLHUP)) && !console.OnInput()) break;
  }
  return 0;
}
