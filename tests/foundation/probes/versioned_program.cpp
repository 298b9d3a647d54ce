// An executable that carries only a version resource (1.2.3.4), for the file
// version tests.
int main() { return 0; }
