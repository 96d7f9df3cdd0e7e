#include "app/Application.h"

int main(int argc, char** argv) { return run_kovadle(argc, argv); }
