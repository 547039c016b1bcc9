// Object libraries need a source while their folder is still empty.
