"""The module's artwork, drawn from simple shapes with the standard library only: the icons and the
instruction pictures, the canvas they are rasterised on, PNG writing and reading, and the generated headers
that carry the pictures into the module."""
