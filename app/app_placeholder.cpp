// Placeholder so the app library has a translation unit before the store exists.
