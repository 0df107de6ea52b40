// The floor for a program's start: a C++ program that prints one line.

#include <iostream>

int main() { std::cout << "hello, world\n"; }
