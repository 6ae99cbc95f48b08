// Placeholder so the ui library has a translation unit before the first window.
