#include "shell/ModeDispatch.h"

SaverMode ChooseMode(const std::string& firstArgument) {
    if (firstArgument.size() < 2) return SaverMode::Saver;
    char letter = firstArgument[1];
    if (letter >= 'a' && letter <= 'z') letter = char(letter - 'a' + 'A');
    switch (letter) {
    case 'P':
        return SaverMode::Preview;
    case 'C':
        return SaverMode::Configure;
    case 'A':
        return SaverMode::ChangePassword;
    default:
        return SaverMode::Saver;
    }
}

SaverMode ChooseMode(const std::vector<std::string>& arguments, SaverMode withoutArguments) {
    return arguments.empty() ? withoutArguments : ChooseMode(arguments.front());
}
