#include <cstdio>
int main() { std::fputs("usage: mapic decode CD-ROOT [--slovak] | mapic build ...\n", stderr); return 1; }
