#include "engine/TestRun.h"

#include "platform/RawDevice.h"

TestRun::TestRun(Run prepared) : run(std::move(prepared)) {}

TestRun::~TestRun()
{
    if (worker.joinable()) {
        stop.Request();
        worker.join();
    }
    CloseDescriptors();
}

void TestRun::CloseDescriptors()
{
    CloseRawDescriptor(&readDescriptor);
    CloseRawDescriptor(&writeDescriptor);
}
