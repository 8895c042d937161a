"""examples/galton: a Galton board, balls falling through rows of pegs into bins."""
from .scene_writer import bar, circle, finish, Mesh, rect, Scene


def write(root):
    s = Scene(root, "galton",
              "A Galton board: 180 balls fall through rows of pegs into bins.",
              "--ticks 240")
    s.comment("Every peg is a static object that collides through a short thick line",
              "(obj_col_line with a radius): lines are the cheapest static shapes. Each ball",
              "is a small moving body of 12 triangles; at every peg it goes left or right by",
              "chance, so the bins fill in the shape of a bell curve.")
    s.settings(fps=60, step_iterations=3, solver_iterations=10, gravity=(0, 500), damping=0.9,
               mouse_impulse_force=0.05, mouse_impulse_force_max=1500,
               scroller_text="A Galton board -- every ball takes its own way through the pegs",
               scroller_text_y=740, scroller_text_scale=0.2, scroller_text_thickness=2,
               scroller_text_speed=100, scroller_text_color=(0.99, 0.86, 0.5, 1))
    board = Mesh("Galton board: the back board, funnel and bins, drawn only")
    left, right, bin_top, floor = 152.0, 872.0, 510.0, 720.0
    board.poly("slate", rect(left - 10, 20, right + 10, floor + 10))
    funnel = [((300, 24), (490, 196)), ((724, 24), (534, 196))]
    for (x0, y0), (x1, y1) in funnel:
        board.poly("wood", bar(x0, y0, x1, y1, 8))
    board.poly("wood_dark", rect(left - 10, floor, right + 10, floor + 12))
    pitch = 36.0
    walls = [left + pitch * i for i in range(21)]
    for x in walls:
        board.poly("wood_dark", rect(x - 3, bin_top, x + 3, floor))
    s.comment("The board is drawn behind everything; its walls collide through lines below.")
    s.obj("Board", (0, 0), mesh=s.mesh("board.obj", board))
    s.comment("The funnel, the side walls, the floor and the bin walls.")
    lines = [("funnel_left", (300, 24, 490, 196)), ("funnel_right", (724, 24, 534, 196)),
             ("side_left", (left, 30, left, floor)), ("side_right", (right, 30, right, floor)),
             ("floor", (left, floor, right, floor))]
    lines += [(f"bin{i:02d}", (x, bin_top, x, floor)) for i, x in enumerate(walls[1:-1])]
    for name, (x0, y0, x1, y1) in lines:
        s.obj(name, (0, 0), col_line=(x0, y0, x1, y1, 3), friction=0.3, bounciness=0.2)
    peg = s.mesh("peg.obj", Mesh("Galton board: a peg").poly("cream", circle(5, 12)))
    s.comment("Pegs: 12 rows, each shifted half a step from the one above.")
    for row in range(12):
        y = 236 + row * 22
        offset = 7 + (0 if row % 2 == 0 else pitch / 2)  # no peg right under the mouth
        x = left + pitch / 2 + offset - pitch
        col = 0
        while x <= right:
            if x > left + 4 and x < right - 4:
                s.obj(f"peg{row}_{col:02d}", (x, y), mesh=peg, col_line=(0, -0.5, 0, 0.5, 4.5),
                      friction=0.3, bounciness=0.1)
                col += 1
            x += pitch
    colours = ["coral", "teal", "sky", "gold", "plum"]
    s.comment("180 balls start packed in the funnel and run out of its mouth, 44 units wide:",
              "narrower ones jam.")
    # An octagon (six triangles) collides almost like the drawn 12-sided ball at half the cost.
    col_ball = s.mesh("ball_col.obj", Mesh("Galton board: ball collision").poly(
        "cream", circle(5.1, 8, turn=0.5)), with_materials=False)
    n, row = 0, 0
    while n < 180:
        y = 182 - row * 9.5
        inner = 300 + (490 - 300) * (24 - y) / (24 - 196)  # the funnel's left side at y
        cols = int((2 * (512 - inner) - 16) // 11.5)
        for c in range(cols):
            if n == 180:
                break
            x = 512 - (cols - 1) * 11.5 / 2 + c * 11.5 + (row % 2) * 2
            colour = colours[n % 5]
            s.obj(f"ball{n:03d}", (x, y), mesh=s.mesh(f"ball_{colour}.obj", Mesh(
                f"Galton board: a {colour} ball").poly(colour, circle(5, 12))), col_mesh=col_ball,
                  mass=0.2, friction=0.1, bounciness=0.1)
            n += 1
        row += 1
    finish(s)
