// Times the file deployment: 500 small files and 5 files of 50 MB copied
// into 5 targets. Built natively (portable back ends) and for Windows (the
// real ones, under Wine); tools/bench.sh sets it against cp -r.

#include <chrono>
#include <cstdio>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "app/progress_form.h"
#include "bench/bench_platform.h"
#include "contract/contract_world.h"
#include "install/deployment.h"
#include "ui/headless/headless_toolkit.h"

int main() {
  using namespace setup;
  std::unique_ptr<ContractWorld> world = MakeContractWorld();
  FileSystem& files = world->files();
  std::string program = files.ExecutableFolder();
  std::string small(2048, 's');
  for (int i = 0; i < 500; ++i) world->WriteFile(program + "bench\\small\\f" + std::to_string(i) + ".8bf", small);
  std::string big(50u * 1024 * 1024, 'b');
  for (int i = 0; i < 5; ++i) world->WriteFile(program + "bench\\big\\g" + std::to_string(i) + ".bin", big);
  world->WriteFile(program + "setup.ini", "[files]\r\n1=bench\\small\\*.8bf\r\n2=bench\\big\\*.bin\r\n");

  NoKeyboard keyboard;
  SomeYear clock;
  Platform platform{world->registry(), world->profile(), files, keyboard, clock};
  HeadlessToolkit toolkit;
  std::unique_ptr<Window> progress = toolkit.CreateForm(TProgressForm::kSpec, nullptr);
  std::string targets = world->Folder();
  for (int t = 0; t < 5; ++t) world->MakeFolder(targets + "target" + std::to_string(t));

#ifndef _WIN32
  ::sync();  // as before cp -r: no writing back of the sources during the copy
#endif
  auto start = std::chrono::steady_clock::now();
  for (int t = 0; t < 5; ++t) {
    DeploymentContext context{platform, toolkit, *progress, TProgressForm::File, TProgressForm::FileBar,
                              targets + "target" + std::to_string(t), "Sub"};
    DeployToTarget(context, kCustomTarget);
  }
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  bool complete = world->ReadFile(targets + "target4\\Sub\\bench\\big\\g4.bin").size() == big.size();
  std::printf("deployment: 5 targets x (500 files of 2 KiB + 5 files of 50 MiB): %.2f s%s\n", seconds,
              complete ? "" : " (INCOMPLETE)");
  std::printf("messages shown: %zu\n", toolkit.messages_.size());
  return complete && toolkit.messages_.empty() ? 0 : 1;
}
