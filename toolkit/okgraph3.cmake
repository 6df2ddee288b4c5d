# The graph plotter: its mapping and layout maths are pure and build everywhere; the plotter
# itself draws through the forms canvas and builds for Windows only.
