// The screensaver host's switches: which mode the first argument asks for.
#pragma once

#include <string>
#include <vector>

enum class SaverMode { Saver, Configure, Preview, ChangePassword };

// Upper-cases the argument (ASCII), drops its first character whatever it
// is, and reads the letter then standing first; too short or unknown: Saver.
SaverMode ChooseMode(const std::string& firstArgument);

// The mode of the host's arguments. Who starts the program without any
// argument expects `withoutArguments`: the Windows shell's "Configure" verb
// the settings dialog, XScreenSaver the saver.
SaverMode ChooseMode(const std::vector<std::string>& arguments, SaverMode withoutArguments);
