#include "kqcalapp.h"

#include <ctime>
#include <iostream>
#include <unistd.h>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(false);
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const CivilDate today{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
    const std::vector<std::string> args(argv + 1, argv + argc);
    const int status = RunKqcal(args, today, isatty(STDOUT_FILENO) != 0, std::cout, std::cerr);
    std::cout.flush();
    return std::cout ? status : 1;
}
