// The library that carries the English plural forms as a resource; it has no code of its own.
