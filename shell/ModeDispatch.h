// The screensaver host's switches: which mode the first argument asks for.
#pragma once

#include <string>

enum class SaverMode { Saver, Configure, Preview, ChangePassword };

// Upper-cases the argument (ASCII), drops its first character whatever it
// is, and reads the letter then standing first; too short or unknown: Saver.
SaverMode ChooseMode(const std::string& firstArgument);
