/* The program the sample scripts are linked into. */
int main(void) { return 0; }
