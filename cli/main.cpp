// fenwa-cli entry point (placeholder until the analysis driver exists).
#include <cstdio>

int main() {
  std::fputs("fenwa-cli: todavía no hay análisis disponibles\n", stderr);
  return 0;
}
