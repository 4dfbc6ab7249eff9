// Translation unit of the module's shared object; the code lives in the folder libraries it links.
