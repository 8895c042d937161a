"""examples/cradle: Newton's cradle, steel balls on pin joints."""
import math

from .scene_writer import ball_mesh, bar, CAPTION, circle, finish, fmt, Mesh, rect, Scene


def write(root):
    s = Scene(root, "cradle",
              "Newton's cradle: five steel balls on pin joints, bouncing without loss.",
              "--ticks 12")
    s.comment("No damping (1 keeps all speed) and bounciness 1 on every ball: elasticity",
              "multiplies, so two balls of bounciness 1 meet perfectly elastically. The balls",
              "hang 2 units apart, so each collision is between two balls only and passes the",
              "whole speed on.")
    s.settings(fps=60, step_iterations=8, solver_iterations=30, gravity=(0, 600), damping=1,
               mouse_impulse_force=0.05, mouse_impulse_force_max=2000,
               scroller_text="Newton's cradle -- pin joints and bounciness 1 -- move the mouse "
               "over a ball to swing it, r restarts",
               scroller_text_y=80, **CAPTION, scroller_text_color=(0.85, 0.90, 1.0, 1))
    radius, sides, length, top = 30.0, 32, 300.0, 180.0
    pitch = 2 * radius * math.cos(math.pi / sides) + 2
    frame = Mesh("Newton's cradle: the frame, drawn only")
    frame.poly("wood_dark", rect(130, 160, 894, 180)).poly("wood", rect(134, 163, 890, 176))
    for x in (142, 882):
        frame.poly("wood_dark", rect(x - 8, 176, x + 8, 650))
    frame.poly("wood_dark", rect(90, 650, 934, 680)).poly("wood", rect(96, 654, 928, 676))
    s.comment("The frame has no collision shape. Objects are drawn in name order, upper case",
              "first, so 'Frame' is drawn behind the balls.")
    s.obj("Frame", (0, 0), mesh=s.mesh("frame.obj", frame))
    # The string is part of the ball's mesh, drawn from the centre to the pivot as declared.
    def ball_with_string(name, dx, dy):
        mesh = ball_mesh(radius, sides, "steel_dark", "steel",
                         "Newton's cradle: steel ball with its string up to the pivot")
        mesh.parts.insert(0, ("cream", bar(0, 0, dx, dy, 2.4)))
        return s.mesh(name, mesh)

    col = s.mesh("ball_col.obj", Mesh("Newton's cradle: collision polygon of a ball").poly(
        "steel", circle(radius, sides, turn=0.5)), with_materials=False)
    s.comment("Each ball and its string are one body. Two pin joints tie the top of the",
              "string (its anchor on the body) to two world points above it, 100 units away",
              "each: that holds the top still while the body swings about it. The raised",
              "ball has its own mesh, with the string drawn slanting up to its pivot.")
    for i in range(5):
        pivot = (512 + (i - 2) * pitch, top)
        angle = math.radians(-40 if i == 0 else 0)  # the first ball starts raised to the left
        pos = (pivot[0] + length * math.sin(angle), pivot[1] + length * math.cos(angle))
        s.comment(f"Ball {i + 1}, hanging from ({fmt(pivot[0])}, {fmt(top)})"
                  + (", starts raised." if i == 0 else "."))
        top_local = (pivot[0] - pos[0], pivot[1] - pos[1])
        mesh = ball_with_string("ball_raised.obj" if i == 0 else "ball.obj", *top_local)
        s.obj(f"ball{i + 1}", pos, mesh=mesh, col_mesh=col, mass=1, bounciness=1, friction=0)
        for side in (-1, 1):
            s.joint("pin", f"ball{i + 1}", top_local, (pivot[0] + side * 60, top - 80))
    finish(s)
