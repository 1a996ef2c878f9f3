/* A stand-in for a program the installation starts (gnuplot, an editor): it keeps the command line it
   was given in NAME-command.txt beside itself, for the setup's test to read. */
#include <windows.h>

#include <stdio.h>
#include <string.h>

int main(void) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH - 16);
    if (length < 4)
        return 1;
    strcpy(path + length - 4, "-command.txt");
    FILE* out = fopen(path, "w");
    if (out == NULL)
        return 1;
    fputs(GetCommandLineA(), out);
    fclose(out);
    return 0;
}
