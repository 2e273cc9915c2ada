#pragma once
#include <gtest/gtest.h>

// Every test of a program linking this talks to the module as COM clients do: registered in the
// test prefix, created by class identifier, on an apartment thread, with task memory watched
// (tests/server/task_memory.h). HKEY_CURRENT_USER is a private key for the program's run, so
// the settings the tests write are never the user's.

// A test that makes the module's objects: when it ends, every object and server lock it took
// must be gone (DllCanUnloadNow), and the class object must hold no more references than when
// the program started. Checked after the fixture's members are released.
class ModuleTest : public testing::Test {
 protected:
  ~ModuleTest() override;
};
