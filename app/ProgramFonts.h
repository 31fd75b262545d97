#pragma once

// The windows are drawn in Tahoma. The only Tahoma on the system may be the one that comes with
// wine's fonts, in a folder fontconfig doesn't search, so the program registers it itself.
class ProgramFonts
{
public:
    // Registers regular and bold Tahoma unless the system already has the family. Returns
    // whether Tahoma is available afterwards.
    static bool registerTahoma();
};
