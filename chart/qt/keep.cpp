// Keeps the target non-empty before its first sources exist.
