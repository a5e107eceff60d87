// The core's messages and questions as modal boxes with the desktop's choices: a warning has
// "OK", a question "Sim" and "Não". The box keeps the keyboard until it is answered.
import type { MessageBox } from "./core-api.js";

export function presentBox(box: MessageBox): Promise<boolean> {
  const dialog = document.getElementById("messageBox") as HTMLDialogElement;
  const title = document.getElementById("messageTitle") as HTMLElement;
  const text = document.getElementById("messageText") as HTMLElement;
  const yes = document.getElementById("yesButton") as HTMLButtonElement;
  const no = document.getElementById("noButton") as HTMLButtonElement;
  const ok = document.getElementById("okButton") as HTMLButtonElement;
  title.textContent = box.title || "TARVELO";
  text.textContent = box.text;
  yes.hidden = no.hidden = !box.question;
  ok.hidden = box.question;
  dialog.dataset.kind = box.question ? "question" : "warning";
  return new Promise((resolve) => {
    const finish = (answer: boolean) => {
      yes.onclick = no.onclick = ok.onclick = null;
      dialog.oncancel = null;
      dialog.close();
      resolve(answer);
    };
    yes.onclick = () => finish(true);
    no.onclick = () => finish(false);
    ok.onclick = () => finish(true);
    // Escape answers a question "Não" and closes a warning.
    dialog.oncancel = (event) => {
      event.preventDefault();
      finish(!box.question);
    };
    dialog.showModal();
    (box.question ? yes : ok).focus();
  });
}

export function warn(text: string): Promise<boolean> {
  return presentBox({ title: "TARVELO", text, question: false, answer: false });
}
