// Whether a copy of the program starts at the user's logon: its entry in the user's Run key,
// and the mark that Task Manager leaves beside an entry the user disabled there.
#pragma once

#include <windows.h>

#include <string>

class StartWithWindows {
public:
    // The full path of the running program file.
    static std::wstring RunningProgram();

    // The entry as seen by the copy of the program at `programFile`, a full path.
    explicit StartWithWindows(std::wstring programFile = RunningProgram());

    // True when the entry holds this copy's quoted path and is not marked disabled.
    bool IsOn() const;
    // Turns the entry off when it is on; otherwise points it at this copy and clears a
    // disabled mark. Returns ERROR_SUCCESS, or the system's error, and then nothing changed.
    DWORD Toggle() const;
    // Removes the entry and its mark when the entry points at this copy, however it is
    // marked; an entry of another copy stays. Returns ERROR_SUCCESS or the system's error.
    DWORD RemoveIfHere() const;

private:
    bool PointsHere() const;
    DWORD TurnOn() const;

    std::wstring program;
};
