#pragma once
// Points both registry hives at files in a fresh temporary folder for the lifetime of the
// object, and restores the previous settings afterwards.
#include <string>

#include "support/TestUtil.h"

class TempRegistry {
public:
    TempRegistry();
    ~TempRegistry();
    TempRegistry(const TempRegistry&) = delete;
    TempRegistry& operator=(const TempRegistry&) = delete;

    const std::string& userFile() const { return m_user; }
    const std::string& machineFile() const { return m_machine; }
    const TempDir& dir() const { return m_dir; }

private:
    TempDir m_dir;
    std::string m_user, m_machine;
    bool m_hadUser, m_hadMachine;
    std::string m_oldUser, m_oldMachine;
};
